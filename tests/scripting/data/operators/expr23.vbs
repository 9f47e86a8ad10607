MsgBox TypeName(100000 \ 2)
'> Long
