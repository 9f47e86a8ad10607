MsgBox "abc" < "abd"
'> True
