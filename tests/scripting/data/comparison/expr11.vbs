MsgBox Empty = 0
'> True
