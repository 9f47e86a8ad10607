i = 0
Do
 While True
  i = i + 1
  If i > 2 Then Exit Do
 Wend
Loop
MsgBox i
'> 3
