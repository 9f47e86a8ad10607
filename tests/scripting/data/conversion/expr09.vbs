MsgBox Int(3.7)
'> 3
