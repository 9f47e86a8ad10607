MsgBox CInt(3.5)
'> 4
