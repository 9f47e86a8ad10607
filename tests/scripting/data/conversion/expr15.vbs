MsgBox CDbl("1.5")
'> 1.5
