s = ""
For i = 1 To 1000
 s = s & "x"
Next
MsgBox Len(s)
'> 1000
