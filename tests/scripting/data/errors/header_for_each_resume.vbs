On Error Resume Next
n = 0
v = "before"
For Each v In Empty
 n = n + 1
 inside = Err.Number
Next
MsgBox n & " " & inside & " " & Err.Number & " " & v
Err.Clear
m = 0
For Each w In Array(1 / 0, 2)
 m = m + 1
 inside = Err.Number
Next
MsgBox m & " " & inside & " " & Err.Number
'> 1 451 451 before
'> 1 11 451
