MsgBox 2 <= 2
'> True
