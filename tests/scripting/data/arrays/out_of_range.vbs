Dim a(2)
a(3) = 1
'! 9 @1:0 Subscript out of range
