Class C : Public V : End Class
Set a = New C : Set a.V = New C
With a
 With .V
  .V = 5
 End With
End With
MsgBox a.V.V
'> 5
