x = 2
If x > 3 Then
 MsgBox "big"
ElseIf x > 1 Then
 MsgBox "mid"
Else
 MsgBox "small"
End If
'> mid
