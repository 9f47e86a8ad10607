MsgBox TimeSerial(13, 5, 0)
'> 1:05:00 PM
