MsgBox DatePart("q", #5/1/2000#)
'> 2
