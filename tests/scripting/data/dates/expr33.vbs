MsgBox TimeValue("14:30")
'> 2:30:00 PM
