MsgBox InStr(4, "hello", "l")
'> 4
