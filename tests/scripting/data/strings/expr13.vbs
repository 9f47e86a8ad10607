MsgBox InStr(1, "Hello", "h", 1)
'> 1
