On Error Resume Next
x = 0
If 1 / 0 Then x = 1
MsgBox x & " " & Err.Number
Err.Clear
y = 0
If False Then
 y = 1
ElseIf 1 / 0 Then
 y = 2
Else
 y = 3
End If
MsgBox y & " " & Err.Number
'> 1 11
'> 2 11
