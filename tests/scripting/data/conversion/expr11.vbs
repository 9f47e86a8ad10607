MsgBox Fix(-3.7)
'> -3
