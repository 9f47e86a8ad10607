SetLocale 9999
'! 5 @0:0 Invalid procedure call or argument
