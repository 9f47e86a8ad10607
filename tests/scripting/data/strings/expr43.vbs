MsgBox Oct(8)
'> 10
