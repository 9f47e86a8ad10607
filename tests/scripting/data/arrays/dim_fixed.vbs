Dim a(3)
a(3) = "x"
MsgBox UBound(a) & a(3)
'> 3x
