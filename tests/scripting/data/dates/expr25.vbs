MsgBox IsDate("hello")
'> False
