Dim m(2, 3)
m(2, 3) = 7
MsgBox UBound(m, 1) & UBound(m, 2) & m(2, 3)
'> 237
