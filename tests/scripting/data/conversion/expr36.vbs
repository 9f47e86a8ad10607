MsgBox IsNumeric(Null)
'> False
