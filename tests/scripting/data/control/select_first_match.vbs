Select Case 1
 Case 1: MsgBox "a"
 Case 1: MsgBox "b"
End Select
'> a
