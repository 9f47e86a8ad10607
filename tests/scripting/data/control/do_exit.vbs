i = 0
Do
 i = i + 1
 If i = 5 Then Exit Do
Loop
MsgBox i
'> 5
