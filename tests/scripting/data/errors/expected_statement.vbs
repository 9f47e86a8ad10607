Then
'! 1024 @0:0 Expected statement
