Sub Bad()
 x = 1 / 0
 MsgBox "not here"
End Sub
On Error Resume Next
Bad
MsgBox "after " & Err.Number
'> after 11
