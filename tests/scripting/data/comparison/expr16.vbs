MsgBox "10" = 10
'> True
