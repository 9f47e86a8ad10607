Select Case 9
 Case 1: MsgBox 1
End Select
MsgBox "after"
'> after
