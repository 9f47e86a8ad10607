s = ""
For i = 10 To 1 Step -3
 s = s & i & ","
Next
MsgBox s
'> 10,7,4,1,
