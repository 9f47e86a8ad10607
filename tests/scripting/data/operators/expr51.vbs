MsgBox &O17
'> 15
