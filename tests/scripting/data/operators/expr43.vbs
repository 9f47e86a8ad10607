MsgBox 2 + 3 & 4
'> 54
