Set r = New RegExp
r.Pattern = "^\x41\u0042\103\q\v$"
MsgBox r.Test("ABCq" & Chr(11))
r.Pattern = "^a{,2}\}$"
MsgBox r.Test("a{,2}}")
r.Pattern = "\xZ"
MsgBox r.Test("xZ")
'> True
'> True
'> True
