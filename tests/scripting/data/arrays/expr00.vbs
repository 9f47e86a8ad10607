MsgBox UBound(Array(1, 2, 3))
'> 2
