MsgBox "True" = True
n = 5
MsgBox "abc" = n
n = 10
MsgBox "010" = n
MsgBox "010" = 10
MsgBox "5" = 2 + 3
x = False
Select Case 3
 Case "test"
  x = "wrong"
 Case 3
  x = "right"
End Select
MsgBox x
MsgBox "1/1/2000" = #1/1/2000#
'> True
'> False
'> False
'> True
'> True
'> right
'> True
