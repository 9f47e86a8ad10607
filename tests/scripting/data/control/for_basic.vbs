s = ""
For i = 1 To 3
 s = s & i
Next
MsgBox s & " " & i
'> 123 4
