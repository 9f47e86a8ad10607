Dim 5
'! 1010 @0:4 Expected identifier
