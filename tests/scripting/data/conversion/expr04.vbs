MsgBox CInt("12")
'> 12
