x = 1 : y = 1 / 0
'! 11 @0:8 Division by zero
