MsgBox VarType(1)
'> 2
