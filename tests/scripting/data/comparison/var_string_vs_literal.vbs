b = "1"
MsgBox (b = 1)
'> True
