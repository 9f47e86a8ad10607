Set r = New RegExp
r.Pattern = "o"
MsgBox r.Replace("foo boo", "0")
r.Global = True
MsgBox r.Replace("foo boo", "0")
'> f0o boo
'> f00 b00
