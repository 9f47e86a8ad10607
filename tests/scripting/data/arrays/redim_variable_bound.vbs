n = 3
ReDim a(n * 2)
MsgBox UBound(a)
'> 6
