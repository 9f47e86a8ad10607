MsgBox Exp(0)
'> 1
