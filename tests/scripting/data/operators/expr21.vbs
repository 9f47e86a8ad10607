MsgBox TypeName(1 / 1)
'> Double
