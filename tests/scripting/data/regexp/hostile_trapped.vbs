' A pattern that runs out of steps is an ordinary error: On Error sees it.
Set r = New RegExp
r.Pattern = "(x+x+)+y"
On Error Resume Next
x = r.Test(String(64, "x") & "zy")
MsgBox Err.Number
r.Pattern = "x+y"
MsgBox r.Test("xxy")
'> 28
'> True
