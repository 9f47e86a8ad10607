MsgBox InStr("hello", "z")
'> 0
