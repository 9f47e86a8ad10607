x = 1
y = Eval("1 +")
'! 1023 @1:0 Expected expression
