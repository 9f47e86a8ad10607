MsgBox IsNumeric("12.5")
'> True
