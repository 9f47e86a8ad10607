MsgBox TypeName(Null + 1)
'> Null
