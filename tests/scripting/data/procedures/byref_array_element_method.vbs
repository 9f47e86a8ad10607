Class Setter
  Sub SetIt(y) : y = "set" : End Sub
End Class
Dim o, a(1)
Set o = New Setter
o.SetIt a(1)
MsgBox a(1)
'> set
