MsgBox 10 - 2 - 3
'> 5
