MsgBox CDate(2)
'> 1/1/1900
