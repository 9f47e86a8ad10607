MsgBox (1 + 2) * 3
'> 9
