x = ChrB(256)
'! 6 @0:0 Overflow
