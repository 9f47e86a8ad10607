ReDim a(5)
a(1) = "k"
ReDim Preserve a(1)
MsgBox a(1) & UBound(a)
'> k1
