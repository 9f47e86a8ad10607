MsgBox 2 ^ 3 ^ 2
'> 64
