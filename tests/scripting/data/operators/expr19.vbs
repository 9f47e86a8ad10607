MsgBox TypeName(32767 + 1)
'> Long
