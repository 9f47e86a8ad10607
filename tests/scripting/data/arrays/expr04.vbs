MsgBox IsArray(1)
'> False
