MsgBox -7 \ 2
'> -3
