Set r = New RegExp
r.Pattern = "Ab"
MsgBox r.Test("xaBx")
r.IgnoreCase = True
MsgBox r.Test("xaBx") & " " & r.IgnoreCase
'> False
'> True True
