a = 100 : b = "1"
MsgBox (a < b)
'> True
