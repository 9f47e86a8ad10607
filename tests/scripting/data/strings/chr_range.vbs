x = Chr(300)
'! 5 @0:0 Invalid procedure call or argument
