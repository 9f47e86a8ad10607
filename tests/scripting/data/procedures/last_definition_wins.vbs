MsgBox F()
Function F()
 F = 1
End Function
Sub F
End Sub
Function F()
 F = 2
End Function
MsgBox F()
'> 2
'> 2
