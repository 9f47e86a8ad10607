x = 5 \ 0
'! 11 @0:0 Division by zero
