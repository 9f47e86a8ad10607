MsgBox 2 ^ 10
'> 1024
