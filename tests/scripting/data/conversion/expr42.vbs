MsgBox VarType(1.5)
'> 5
