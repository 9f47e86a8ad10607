MsgBox TypeName(Empty + Empty)
'> Integer
