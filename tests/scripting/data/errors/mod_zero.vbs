x = 5 Mod 0
'! 11 @0:0 Division by zero
