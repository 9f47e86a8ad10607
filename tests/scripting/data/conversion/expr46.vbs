MsgBox VarType(True)
'> 11
