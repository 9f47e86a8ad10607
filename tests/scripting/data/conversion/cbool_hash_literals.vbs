MsgBox CBool("#TRUE#") & " " & CBool("#false#")
If "#FALSE#" Then MsgBox "taken" Else MsgBox "not taken"
'> True False
'> not taken
