Sub S() : loc = 5 : End Sub
S
MsgBox IsEmpty(loc)
'> True
