If "True" Then MsgBox "t"
'> t
