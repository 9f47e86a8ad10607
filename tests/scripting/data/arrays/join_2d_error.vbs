Dim a(1, 1)
x = Join(a)
'! 9 @1:0 Subscript out of range
