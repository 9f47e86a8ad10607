MsgBox CDbl(#1/1/1900#)
'> 2
