ReDim a(1, 1)
a(1, 1) = 4
ReDim Preserve a(1, 3)
MsgBox a(1, 1) & UBound(a, 2)
'> 43
