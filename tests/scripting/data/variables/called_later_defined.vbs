Sub S() : MsgBox Later2(4) : End Sub
ExecuteGlobal "Function Later2(x) : Later2 = x + 1 : End Function"
S
'> 5
