a = Array(1, 2)
For Each x In a
 a(1) = 9
 s = s & x
Next
MsgBox s
'> 12
