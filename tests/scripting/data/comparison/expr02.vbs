MsgBox 1 < 2
'> True
