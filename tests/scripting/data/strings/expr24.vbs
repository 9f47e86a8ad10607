MsgBox UCase("AbC")
'> ABC
