MsgBox MonthName(2, True)
'> Feb
