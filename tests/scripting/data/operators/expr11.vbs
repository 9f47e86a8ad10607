MsgBox "a" & "b"
'> ab
