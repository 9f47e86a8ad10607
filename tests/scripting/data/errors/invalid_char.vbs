x = 1 ? 2
'! 1032 @0:6 Invalid character
