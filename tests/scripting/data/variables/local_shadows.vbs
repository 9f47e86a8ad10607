Dim v : v = 1
Sub S()
 Dim v : v = 2
End Sub
S
MsgBox v
'> 1
