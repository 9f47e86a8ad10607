a = 1 : b = 1
c = a = b
MsgBox c
'> True
