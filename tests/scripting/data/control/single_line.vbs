x = 1
If x = 1 Then MsgBox "one" Else MsgBox "other"
'> one
