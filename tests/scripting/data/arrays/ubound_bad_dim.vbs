x = UBound(Array(1), 2)
'! 9 @0:0 Subscript out of range
