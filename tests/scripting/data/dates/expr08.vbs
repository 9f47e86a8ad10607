MsgBox DateAdd("m", 1, #1/31/2001#)
'> 2/28/2001
