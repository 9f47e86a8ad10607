ReDim a(1)
a(0) = 1
ReDim a(1)
MsgBox IsEmpty(a(0))
'> True
