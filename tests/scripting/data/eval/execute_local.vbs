Sub S()
 Dim q
 Execute "q = 3"
 MsgBox q
End Sub
S
'> 3
