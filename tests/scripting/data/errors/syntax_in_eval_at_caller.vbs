x = 1
y = Eval("1 +")
'! 1002 @1:0 Syntax error
