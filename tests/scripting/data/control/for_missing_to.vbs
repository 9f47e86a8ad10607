For i = 1 2
Next
'! 1013 @0:10 Expected 'To'
