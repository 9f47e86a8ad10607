Do
 x = 1
'! 1019 @3:0 Expected 'Loop'
