x = 1 2
'! 1025 @0:6 Expected end of statement
