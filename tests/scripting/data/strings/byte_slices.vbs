MsgBox LeftB("abcd", 4) & "|" & RightB("abcd", 2) & "|" & MidB("abcd", 3, 4)
'> ab|d|bc
