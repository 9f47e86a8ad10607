Execute "a = 1" & vbCrLf & "b = a + 1"
MsgBox b
'> 2
