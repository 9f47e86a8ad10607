MsgBox InStrRev("a.b.c", ".", 3)
'> 2
