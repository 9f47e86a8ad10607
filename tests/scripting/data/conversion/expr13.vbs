MsgBox Sgn(-2)
'> -1
