x = Array(Array("a", 0))
x(0)(1) = 5
MsgBox x(0)(1)
y = x
y(0)(1) = 7
MsgBox x(0)(1) & " " & y(0)(1)
z = Array(1, 2)
On Error Resume Next
z(0)(1) = 3
MsgBox Err.Number
'> 5
'> 5 7
'> 13
