ReDim a(1, 1)
ReDim Preserve a(3, 1)
'! 9 @1:0 Subscript out of range
