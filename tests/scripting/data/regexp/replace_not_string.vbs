Set r = New RegExp
r.Pattern = "\[([^\[]+)\]"
MsgBox r.Replace("- [test] -", True)
MsgBox r.Replace("- [test] -", 6)
'> - -1 -
'> - 6 -
