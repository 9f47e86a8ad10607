On Error Resume Next
n = 0
Do While 1 / 0
 n = n + 1
 s = Err.Number
 Exit Do
Loop
MsgBox n & " " & s
Err.Clear
m = 0
Do
 m = m + 1
Loop Until CLng("x")
MsgBox m & " " & Err.Number
Err.Clear
k = 0
t = "not a truth value"
While CBool(t)
 k = k + 1
 t = False
Wend
MsgBox k & " " & Err.Number
'> 1 11
'> 1 13
'> 1 13
