While True
'! 1018 @2:0 Expected 'Wend'
