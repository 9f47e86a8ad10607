ReDim a(1)
a(0) = "k"
ReDim Preserve a(5)
MsgBox a(0) & UBound(a)
'> k5
