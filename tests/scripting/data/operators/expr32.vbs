MsgBox 5 And 3
'> 1
