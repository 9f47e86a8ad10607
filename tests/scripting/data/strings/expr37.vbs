MsgBox Join(Array("x"), ",")
'> x
