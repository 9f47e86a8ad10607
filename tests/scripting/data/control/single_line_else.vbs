x = 2
If x = 1 Then MsgBox "one" Else MsgBox "other"
'> other
