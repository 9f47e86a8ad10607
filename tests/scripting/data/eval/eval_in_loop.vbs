For i = 1 To 100
 s = Eval("s + 1")
Next
MsgBox s
'> 100
