Set r = New RegExp
r.Pattern = "(ab"
MsgBox "set"
MsgBox r.Test("ab")
'> set
'! 5020 @3:0 Expected ')' in regular expression
