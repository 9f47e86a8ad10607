Function F(a)
 b = 10
 F = Eval("a + b")
End Function
MsgBox F(5)
'> 15
