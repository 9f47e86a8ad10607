Dim g
Sub S() : g = g + 1 : End Sub
S : S
MsgBox g
'> 2
