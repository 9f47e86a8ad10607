On Error Resume Next
x = 1 / 0
Err.Clear
MsgBox Err.Number
'> 0
