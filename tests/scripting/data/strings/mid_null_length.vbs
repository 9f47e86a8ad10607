x = Mid("test", 0, Null)
'! 94 @0:0 Invalid use of Null
