On Error Resume Next
Set r = New RegExp
r.Pattern = "(a+)+$"
x = r.Test(String(30, "a") & "b")
r.Pattern = "(x+x+)+y"
x = r.Test(String(40, "x"))
r.Pattern = "[z-a]("
x = r.Test("a")
MsgBox Err.Number
