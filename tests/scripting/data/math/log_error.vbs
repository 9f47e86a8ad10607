x = Log(0)
'! 5 @0:0 Invalid procedure call or argument
