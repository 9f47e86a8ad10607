If False Then a = 1 : b = 2
MsgBox IsEmpty(b)
'> True
