MsgBox True Or Null
'> True
