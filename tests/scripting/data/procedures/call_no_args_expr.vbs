Function Five() : Five = 5 : End Function
MsgBox Five + 1
'> 6
