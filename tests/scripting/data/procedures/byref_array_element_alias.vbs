Dim a(1)
Sub S(x)
  x = 3
  MsgBox a(0)
  a(0) = 4
  MsgBox x
End Sub
S a(0)
MsgBox a(0)
'> 3
'> 4
'> 4
