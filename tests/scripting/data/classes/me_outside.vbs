x = Me
'! 1037 @0:4 Invalid use of 'Me' keyword
