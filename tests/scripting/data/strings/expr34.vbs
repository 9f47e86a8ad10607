MsgBox UBound(Split("a,b,,c", ","))
'> 3
