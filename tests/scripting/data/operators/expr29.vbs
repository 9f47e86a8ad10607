MsgBox TypeName(True + True)
'> Integer
