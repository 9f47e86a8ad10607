MsgBox DatePart("y", #2/1/2000#)
'> 32
