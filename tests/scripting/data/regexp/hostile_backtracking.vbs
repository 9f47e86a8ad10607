Set r = New RegExp
r.Pattern = "(a+)+$"
MsgBox r.Test("aaaa")
x = r.Test(String(40, "a") & "b")
'> True
'! 28 @3:0 Out of stack space
