Class C
 Public Default Sub Init(a)
  MsgBox "init " & a
 End Sub
End Class
Class D
 Public Default Function Twice(a)
  Twice = a * 2
 End Function
End Class
Set o = New C
o 3
o.Init 4
Set d = New D
MsgBox d(5)
'> init 3
'> init 4
'> 10
