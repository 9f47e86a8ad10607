Function F() : n = n + 1 : F = 2 : End Function
Dim n
Select Case F()
 Case 1: MsgBox "x"
 Case 2: MsgBox "two"
End Select
'> two
