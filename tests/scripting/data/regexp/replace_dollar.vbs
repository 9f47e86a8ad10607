Set r = New RegExp
r.Pattern = "(\$(\d))"
r.Global = True
MsgBox r.Replace("$1,$2", "$$1-$1$2")
MsgBox r.Replace("$1", "$x$")
'> $1-$11,$1-$22
'> $x$
