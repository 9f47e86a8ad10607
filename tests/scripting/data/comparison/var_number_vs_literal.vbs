a = 1
MsgBox (a = "1")
'> True
