MsgBox 1 & 2
'> 12
