MsgBox 10 / 4
'> 2.5
