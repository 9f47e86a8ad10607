a = 1
x = (a = "z")
'! 13 @1:0 Type mismatch
