MsgBox True + True
'> -2
