c = 0
For i = 1 To 3
 For j = 1 To 2
  c = c + 1
 Next j
Next i
MsgBox c
'> 6
