' Each start position backtracks only a few thousand steps, but there are
' tens of thousands of them: the budget counts the whole call.
Set r = New RegExp
r.Pattern = "(a+)+$"
s = String(12, "a") & "b"
For i = 1 To 14
    s = s & s
Next
MsgBox Len(s)
x = r.Test(s)
'> 212992
'! 28 @9:0 Out of stack space
