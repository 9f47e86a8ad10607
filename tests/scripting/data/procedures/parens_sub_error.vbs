Sub S(a, b) : End Sub
S(1, 2)
'! 1044 @1:1 Cannot use parentheses when calling a Sub
