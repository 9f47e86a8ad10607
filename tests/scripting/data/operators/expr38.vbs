MsgBox IsNull(True And Null)
'> True
