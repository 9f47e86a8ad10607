Function F()
 For i = 1 To 10
  If i = 3 Then F = i : Exit Function
 Next
End Function
MsgBox F()
'> 3
