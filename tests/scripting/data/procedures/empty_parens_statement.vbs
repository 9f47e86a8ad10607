Class C
 Public N
 Public Function Ret()
  N = N + 1
  Set Ret = Me
 End Function
 Public Sub M()
  N = N + 10
 End Sub
End Class
Sub S()
 MsgBox "S"
End Sub
S()
Set o = New C
o.M()
o.Ret().Ret()
MsgBox o.N
On Error Resume Next
Err.Raise 5
Err.Clear()
MsgBox Err.Number
'> S
'> 12
'> 0
