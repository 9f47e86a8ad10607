MsgBox InStr("hello", "l")
'> 3
