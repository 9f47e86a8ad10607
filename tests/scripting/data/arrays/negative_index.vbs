Dim a(2)
x = a(-1)
'! 9 @1:0 Subscript out of range
