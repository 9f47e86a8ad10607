Set r = New RegExp
r.Pattern = "b"
MsgBox r.Replace("abc", "x$&z")
'> axbzc
