c = 0
For i = 5 To 1
 c = c + 1
Next
MsgBox c & " " & i
'> 0 5
