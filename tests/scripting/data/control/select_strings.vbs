s = "b"
Select Case s
 Case "a": MsgBox 1
 Case "b", "c": MsgBox 2
End Select
'> 2
