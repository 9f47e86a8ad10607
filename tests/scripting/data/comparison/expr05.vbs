MsgBox "a" < "b"
'> True
