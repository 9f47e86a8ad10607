Sub Hi(n)
 MsgBox "hi " & n
End Sub
Call Hi("amy")
'> hi amy
