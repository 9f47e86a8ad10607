MsgBox Second(#1/1/2000 3:45:10 PM#)
'> 10
