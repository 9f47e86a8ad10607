MsgBox TypeName("")
'> String
