' Named groups, inline options and verbs are PCRE2's, not the language's.
Set r = New RegExp
On Error Resume Next
r.Pattern = "(?<n>a)"
x = r.Test("a")
MsgBox Err.Number
Err.Clear
r.Pattern = "(?i)a"
x = r.Test("A")
MsgBox Err.Number
Err.Clear
r.Pattern = "(*LIMIT_MATCH=1)a"
x = r.Test("a")
MsgBox Err.Number
On Error GoTo 0
r.Pattern = "a)"
x = r.Test("a")
'> 5017
'> 5017
'> 5018
'! 5017 @16:0 Syntax error in regular expression
