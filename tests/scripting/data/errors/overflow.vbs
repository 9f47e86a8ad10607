x = CInt(40000)
'! 6 @0:0 Overflow
