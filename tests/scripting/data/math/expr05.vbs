MsgBox Sin(0)
'> 0
