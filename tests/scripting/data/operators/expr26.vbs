MsgBox 7.5 Mod 2
'> 0
