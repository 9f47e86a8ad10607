MsgBox FormatNumber(-3, 1)
'> -3.0
