x = DatePart("ww", #1/1/2000#, vbSunday, 4)
'! 5 @0:0 Invalid procedure call or argument
