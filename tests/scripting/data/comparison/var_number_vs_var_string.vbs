a = 1 : b = "1"
MsgBox (a = b)
'> False
