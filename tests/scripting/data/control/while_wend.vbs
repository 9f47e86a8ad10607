i = 0
While i < 4
 i = i + 1
Wend
MsgBox i
'> 4
