MsgBox WeekdayName(1)
'> Sunday
