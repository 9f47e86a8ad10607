x = Sgn(Null)
'! 94 @0:0 Invalid use of Null
