Sub Safe()
 On Error Resume Next
 x = 1 / 0
 MsgBox "inside " & Err.Number
End Sub
Safe
MsgBox "done"
'> inside 11
'> done
