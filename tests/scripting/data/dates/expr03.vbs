MsgBox Month(#3/4/2005#)
'> 3
