MsgBox IsNull(Null = Null)
'> True
