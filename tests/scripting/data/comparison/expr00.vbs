MsgBox 1 = 1
'> True
