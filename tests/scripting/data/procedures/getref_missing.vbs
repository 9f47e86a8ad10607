Set f = GetRef("Nope")
'! 5 @0:0 Invalid procedure call or argument
