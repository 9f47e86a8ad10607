x = 1
   y = 1 / 0
'! 11 @1:3 Division by zero
