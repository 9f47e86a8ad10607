On Error Resume Next
x = "none"
Select Case 1 / 0
Case 1
 x = "one"
Case Else
 x = "else"
End Select
MsgBox x & " " & Err.Number
Err.Clear
y = "none"
Select Case 3
Case 1
 y = "one"
Case 1 / 0
 y = "failed case"
Case 3
 y = "three"
End Select
MsgBox y & " " & Err.Number
'> none 11
'> failed case 11
