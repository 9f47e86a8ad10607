MsgBox UBound(Array())
'> -1
