MsgBox DateValue("March 5, 2001")
'> 3/5/2001
