MsgBox Year(#3/4/2005#)
'> 2005
