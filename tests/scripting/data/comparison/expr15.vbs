MsgBox True = -1
'> True
