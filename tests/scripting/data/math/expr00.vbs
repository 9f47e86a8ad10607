MsgBox Sqr(16)
'> 4
