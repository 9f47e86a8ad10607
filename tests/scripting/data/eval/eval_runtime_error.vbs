x = Eval("1 / 0")
'! 11 @0:0 Division by zero
