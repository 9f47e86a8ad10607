MsgBox Fix(2.9)
'> 2
