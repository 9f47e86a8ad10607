Set x = New Nope
'! 506 @0:0 Class not defined: 'Nope'
