MsgBox 5 Or 3
'> 7
