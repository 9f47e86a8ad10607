Function Dbl(x) : Dbl = x * 2 : End Function
Set f = GetRef("Dbl")
MsgBox f(21)
'> 42
