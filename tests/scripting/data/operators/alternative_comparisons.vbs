MsgBox (2 => 1) & (1 =< 2) & (2 >< 1) & (True <> Not True)
MsgBox (2 >< 2) & (3 =< 2) & (1 => 2)
'> TrueTrueTrueTrue
'> FalseFalseFalse
