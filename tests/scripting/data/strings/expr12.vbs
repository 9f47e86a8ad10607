MsgBox InStr("Hello", "h")
'> 0
