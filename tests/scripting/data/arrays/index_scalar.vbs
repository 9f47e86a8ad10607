x = 5
y = x(0)
'! 13 @1:0 Type mismatch: 'x'
