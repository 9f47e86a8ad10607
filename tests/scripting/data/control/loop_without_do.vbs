Loop
'! 1038 @0:0 'loop' without 'do'
