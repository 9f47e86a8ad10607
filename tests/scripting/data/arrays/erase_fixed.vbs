Dim a(1)
a(0) = 5
Erase a
MsgBox IsEmpty(a(0)) & UBound(a)
'> True1
