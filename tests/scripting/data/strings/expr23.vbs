MsgBox LCase("AbC")
'> abc
