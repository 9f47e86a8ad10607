On Error Resume Next
For i = 1 To 3
 x = 1 / (i - 2)
 s = s & Err.Number & ","
 Err.Clear
Next
MsgBox s
'> 0,11,0,
