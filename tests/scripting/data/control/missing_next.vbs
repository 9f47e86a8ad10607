For i = 1 To 2
'! 1020 @2:0 Expected 'Next'
