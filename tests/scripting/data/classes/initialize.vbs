Class P
 Public V
 Private Sub Class_Initialize()
  V = 10
 End Sub
End Class
Set p = New P
MsgBox p.V
'> 10
