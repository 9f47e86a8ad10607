MsgBox VarType(Array())
'> 8204
