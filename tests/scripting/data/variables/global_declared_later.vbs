Sub S() : later = 5 : End Sub
Dim later
S
MsgBox later
'> 5
