MsgBox IsNumeric(Empty)
'> True
