c = 0
For i = 1 To 10
 i = i + 1 : c = c + 1
Next
MsgBox c
'> 5
