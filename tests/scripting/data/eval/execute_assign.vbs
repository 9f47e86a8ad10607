Execute "x = 7"
MsgBox x
'> 7
