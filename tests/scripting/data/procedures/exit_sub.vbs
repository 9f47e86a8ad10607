Sub S()
 MsgBox 1
 Exit Sub
 MsgBox 2
End Sub
S
'> 1
