MsgBox 7 - 10
'> -3
