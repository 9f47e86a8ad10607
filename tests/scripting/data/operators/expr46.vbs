MsgBox Not 1 = 2
'> True
