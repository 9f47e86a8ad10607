MsgBox Int(2)
'> 2
