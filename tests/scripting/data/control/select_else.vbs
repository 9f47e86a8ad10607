Select Case 9
 Case 1: MsgBox 1
 Case Else: MsgBox "else"
End Select
'> else
