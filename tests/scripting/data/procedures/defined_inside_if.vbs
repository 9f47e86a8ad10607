MsgBox Early()
If False Then
 Function Early()
  Early = "hoisted"
 End Function
 Sub Never
  MsgBox "never"
 End Sub
End If
Never
'> hoisted
'> never
