i = 10
Do
 i = i + 1
Loop While i < 3
MsgBox i
'> 11
