MsgBox IsNull(DateAdd("d", 1, Null))
'> True
