Sub S(a) : End Sub
S 1, 2
'! 450 @1:0 Wrong number of arguments or invalid property assignment: 'S'
