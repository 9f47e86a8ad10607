MsgBox Join(Array(1, 2, 3))
'> 1 2 3
