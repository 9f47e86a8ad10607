x = Sqr(-1)
'! 5 @0:0 Invalid procedure call or argument
