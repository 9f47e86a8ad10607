MsgBox TypeName(1)
'> Integer
