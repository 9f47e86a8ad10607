On Error Resume Next
x = 1
y = 1 / 0
x = 2
MsgBox x
'> 2
