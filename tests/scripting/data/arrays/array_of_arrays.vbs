a = Array(Array(1, 2), Array(3, 4))
MsgBox a(1)(0)
'> 3
