MsgBox &HFFFF
'> -1
