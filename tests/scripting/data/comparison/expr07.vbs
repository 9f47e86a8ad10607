MsgBox "B" < "a"
'> True
