Class P
 Private Sub Class_Terminate() : MsgBox "gone" : End Sub
End Class
Sub S()
 Dim o : Set o = New P
End Sub
S
MsgBox "back"
'> gone
'> back
