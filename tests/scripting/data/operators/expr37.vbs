MsgBox TypeName(True And Null)
'> Null
