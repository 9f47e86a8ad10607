MsgBox 5.5 Mod 3 & " " & 4.5 Mod 3
'> 0 1
