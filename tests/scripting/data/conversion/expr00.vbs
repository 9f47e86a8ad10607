MsgBox CInt(2.5)
'> 2
