MsgBox CBool("false")
'> False
