MsgBox TypeName(5 \ 2)
'> Integer
