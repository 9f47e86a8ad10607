x = Asc("")
'! 5 @0:0 Invalid procedure call or argument
