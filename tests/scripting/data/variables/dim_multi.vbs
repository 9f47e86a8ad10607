Dim a, b, c
a = 1: b = 2: c = a + b
MsgBox c
'> 3
