x = DatePart("w", #1/1/2000#, 8)
'! 5 @0:0 Invalid procedure call or argument
