MsgBox Not 0
'> -1
