NoSuch 1
'! 13 @0:0 Type mismatch: 'NoSuch'
