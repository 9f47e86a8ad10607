Sub S()
 Dim a(2)
 a(2) = 5
 MsgBox a(2)
End Sub
S
'> 5
