MsgBox -2 ^ 2
'> 4
