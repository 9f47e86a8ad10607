MsgBox VarType(100000)
'> 3
