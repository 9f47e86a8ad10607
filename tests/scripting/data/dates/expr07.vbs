MsgBox DateAdd("d", 1, #12/31/1999#)
'> 1/1/2000
