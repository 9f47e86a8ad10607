x = UBound(5)
'! 13 @0:0 Type mismatch
