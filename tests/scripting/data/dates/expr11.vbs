MsgBox DateDiff("m", #1/31/2000#, #2/1/2000#)
'> 1
