MsgBox Cos(0)
'> 1
