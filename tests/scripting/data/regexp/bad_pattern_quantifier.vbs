Set r = New RegExp
r.Pattern = "*a"
x = r.Replace("a", "b")
'! 5018 @2:0 Unexpected quantifier
