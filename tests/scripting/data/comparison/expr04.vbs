MsgBox 3 >= 4
'> False
