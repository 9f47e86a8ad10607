MsgBox VarType(Null)
'> 1
