x = 0 / 0
'! 6 @0:0 Overflow
