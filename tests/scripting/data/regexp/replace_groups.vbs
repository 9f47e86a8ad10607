Set r = New RegExp
r.Pattern = "(\w+)@(\w+)"
MsgBox r.Replace("mail ann@host now", "$2 at $1")
MsgBox r.Replace("mail ann@host now", "[$3]")
'> mail host at ann now
'> mail [$3] now
