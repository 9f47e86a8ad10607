MsgBox -7 Mod 3
'> -1
