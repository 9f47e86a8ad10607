Class P
 Private Sub Class_Terminate()
  MsgBox "bye"
 End Sub
End Class
Set p = New P
Set p = Nothing
MsgBox "after"
'> bye
'> after
