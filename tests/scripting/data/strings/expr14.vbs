MsgBox InStrRev("hello", "l")
'> 4
