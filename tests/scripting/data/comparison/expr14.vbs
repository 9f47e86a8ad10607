MsgBox 1 = 1.0
'> True
