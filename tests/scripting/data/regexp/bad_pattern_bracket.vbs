Set r = New RegExp
r.Pattern = "[ab"
Set ms = r.Execute("ab")
'! 5019 @2:0 Expected ']' in regular expression
