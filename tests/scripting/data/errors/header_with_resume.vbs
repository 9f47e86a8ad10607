On Error Resume Next
x = 0
With 1 / 0
 x = 1
 inside = Err.Number
 Err.Clear
 .Prop = 1
 member = Err.Number
End With
MsgBox x & " " & inside & " " & member
'> 1 11 424
