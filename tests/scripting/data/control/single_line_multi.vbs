If True Then a = 1 : b = 2
MsgBox a + b
'> 3
