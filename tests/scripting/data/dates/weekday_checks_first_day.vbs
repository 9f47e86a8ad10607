x = Weekday(Null, -1)
'! 5 @0:0 Invalid procedure call or argument
