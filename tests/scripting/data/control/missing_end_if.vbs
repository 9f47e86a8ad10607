If True Then
 x = 1
'! 1014 @3:0 Expected 'End'
