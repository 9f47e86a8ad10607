a = 1
x = (a = "z")
MsgBox x
'> False
