MsgBox IsNumeric("abc")
'> False
