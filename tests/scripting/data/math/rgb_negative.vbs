MsgBox RGB(300, 0, 1)
x = RGB(-1, 0, 0)
'> 65791
'! 5 @1:0 Invalid procedure call or argument
