On Error Resume Next
x = 1 / 0
MsgBox Err.Number & " " & Err.Description
'> 11 Division by zero
