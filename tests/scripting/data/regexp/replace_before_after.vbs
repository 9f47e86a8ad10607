Set r = New RegExp
r.Pattern = "(\&(\d))"
MsgBox "[" & r.Replace("abc &1 123", "$'") & "]"
MsgBox "[" & r.Replace("abc &1 123", "$`") & "]"
'> [abc  123 123]
'> [abc abc  123]
