MsgBox MonthName(2)
'> February
