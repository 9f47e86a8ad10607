Sub Safe()
 On Error Resume Next
End Sub
Safe
x = 1 / 0
'! 11 @4:0 Division by zero
