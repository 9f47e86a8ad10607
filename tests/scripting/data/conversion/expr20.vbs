MsgBox CBool(0)
'> False
