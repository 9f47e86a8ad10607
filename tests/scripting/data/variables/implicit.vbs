x = 5
MsgBox x
'> 5
