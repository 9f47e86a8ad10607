MsgBox 2 ^ -1
'> 0.5
