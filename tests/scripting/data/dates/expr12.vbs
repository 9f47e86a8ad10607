MsgBox DateDiff("yyyy", #12/31/1999#, #1/1/2000#)
'> 1
