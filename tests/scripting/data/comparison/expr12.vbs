MsgBox Empty = ""
'> True
