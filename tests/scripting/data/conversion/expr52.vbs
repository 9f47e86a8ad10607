MsgBox TypeName(Empty)
'> Empty
