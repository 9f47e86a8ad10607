MsgBox Weekday(#1/1/2000#)
'> 7
