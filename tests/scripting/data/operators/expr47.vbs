MsgBox -(-3)
'> 3
