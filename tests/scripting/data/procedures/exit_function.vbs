Function F()
 F = 1
 Exit Function
 F = 2
End Function
MsgBox F()
'> 1
