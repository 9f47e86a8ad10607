Set x = 5
'! 424 @0:0 Object required
