MsgBox IsNumeric(" 7 ")
'> True
