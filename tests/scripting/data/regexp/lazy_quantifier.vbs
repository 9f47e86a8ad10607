Set r = New RegExp
r.Pattern = "<.+?>"
MsgBox r.Execute("<a><b>")(0)
r.Pattern = "<.+>"
MsgBox r.Execute("<a><b>")(0)
'> <a>
'> <a><b>
