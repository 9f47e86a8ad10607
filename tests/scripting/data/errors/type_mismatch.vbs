x = "a" * 2
'! 13 @0:0 Type mismatch
