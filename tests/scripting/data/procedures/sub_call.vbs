Sub Hi(n)
 MsgBox "hi " & n
End Sub
Hi "bob"
'> hi bob
