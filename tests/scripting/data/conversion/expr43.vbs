MsgBox VarType("s")
'> 8
