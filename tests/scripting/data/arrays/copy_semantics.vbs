a = Array(1, 2)
b = a
b(0) = 9
MsgBox a(0) & b(0)
'> 19
