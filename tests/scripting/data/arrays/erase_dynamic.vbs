ReDim a(1)
Erase a
x = UBound(a)
'! 9 @2:0 Subscript out of range
