MsgBox IsNumeric("&HFF")
'> True
