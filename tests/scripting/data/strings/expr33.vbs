MsgBox UBound(Split(""))
'> -1
