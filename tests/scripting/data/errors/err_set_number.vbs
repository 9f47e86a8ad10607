Err.Number = 5
MsgBox Err.Number
'> 5
