MsgBox "a" = "A"
'> False
