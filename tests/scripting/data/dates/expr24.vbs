MsgBox IsDate("1/1/2000")
'> True
