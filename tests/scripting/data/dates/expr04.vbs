MsgBox Day(#3/4/2005#)
'> 4
