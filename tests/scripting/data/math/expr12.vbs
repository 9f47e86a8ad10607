MsgBox 10 Mod 4
'> 2
