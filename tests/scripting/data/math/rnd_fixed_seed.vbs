MsgBox Rnd(0) = 327680 / 16777216
MsgBox Rnd(0) = 327680 / 16777216
MsgBox Rnd() = CSng(11837123 / 16777216)
'> True
'> True
'> True
