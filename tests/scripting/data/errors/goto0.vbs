On Error Resume Next
On Error GoTo 0
x = 1 / 0
'! 11 @2:0 Division by zero
