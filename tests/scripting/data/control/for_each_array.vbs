s = ""
For Each x In Array("a", "b", "c")
 s = s & x
Next
MsgBox s
'> abc
