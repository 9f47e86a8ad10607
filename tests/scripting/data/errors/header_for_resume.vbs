On Error Resume Next
n = 0
i = "before"
For i = 1 / 0 To 3
 n = n + 1
 inside = Err.Number
Next
MsgBox n & " " & inside & " " & Err.Number & " " & i
Err.Clear
m = 0
For j = 1 To 10 Step CInt("x")
 m = m + 1
Next
MsgBox m & " " & Err.Number
'> 1 11 92 before
'> 1 92
