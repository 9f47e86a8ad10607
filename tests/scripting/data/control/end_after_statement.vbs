If False Then x = 1 Else x = 2 End If
MsgBox x
Sub T
 y = 1 End Sub
Function F(a)
 F = a * 2 End Function
Class K
 Public v End Class
T
MsgBox F(4)
Set k = New K
k.v = 3 : MsgBox k.v
If True Then z = 5 End If
MsgBox z
'> 2
'> 8
'> 3
'> 5
