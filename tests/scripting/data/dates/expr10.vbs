MsgBox DateDiff("d", #1/1/2000#, #3/1/2000#)
'> 60
