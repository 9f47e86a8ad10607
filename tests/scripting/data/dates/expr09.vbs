MsgBox DateAdd("yyyy", -1, #2/29/2004#)
'> 2/28/2003
