MsgBox 8.5 Mod 3
'> 2
