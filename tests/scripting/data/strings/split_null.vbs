x = Split(Null, "-", -1, 0)
'! 94 @0:0 Invalid use of Null
