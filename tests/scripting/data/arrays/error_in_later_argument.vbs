a = Array(Array(1, 2), Asray(3, 4))
'! 13 @0:0 Type mismatch: 'Asray'
