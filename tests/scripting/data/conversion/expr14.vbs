MsgBox Sgn(0)
'> 0
