x = 0
If x > 3 Then
 MsgBox "big"
Else
 MsgBox "small"
End If
'> small
