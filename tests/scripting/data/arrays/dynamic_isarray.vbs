Dim a()
MsgBox IsArray(a)
'> True
