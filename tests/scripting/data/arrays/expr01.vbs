MsgBox LBound(Array(1, 2, 3))
'> 0
