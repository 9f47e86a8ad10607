MsgBox IsArray(Array())
'> True
