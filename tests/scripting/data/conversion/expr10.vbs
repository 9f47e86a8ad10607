MsgBox Int(-3.7)
'> -4
