x = 2
Select Case x
 Case "2": MsgBox "match"
 Case Else: MsgBox "no"
End Select
'> match
