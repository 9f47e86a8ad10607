MsgBox Later(2)
Function Later(x) : Later = x * 10 : End Function
'> 20
