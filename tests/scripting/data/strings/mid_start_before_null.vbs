x = Mid(Null, -1, -1)
'! 5 @0:0 Invalid procedure call or argument
