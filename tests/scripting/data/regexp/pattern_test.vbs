Set r = New RegExp
r.Pattern = "a+b"
MsgBox r.Pattern & " " & r.Test("xxaab") & " " & r.Test("xxba")
r.Pattern = 12
MsgBox r.Test("x12") & " " & TypeName(r.Pattern)
'> a+b True False
'> True String
