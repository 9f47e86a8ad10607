MsgBox Split("a,b,c", ",", 2)(1)
'> b,c
