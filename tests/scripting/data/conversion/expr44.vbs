MsgBox VarType(Empty)
'> 0
