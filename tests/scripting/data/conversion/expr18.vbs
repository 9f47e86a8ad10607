MsgBox CBool(1)
'> True
