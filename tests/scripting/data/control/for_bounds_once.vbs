n = 3 : c = 0
For i = 1 To n
 n = 10 : c = c + 1
Next
MsgBox c
'> 3
