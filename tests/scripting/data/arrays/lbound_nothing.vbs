x = LBound(Nothing)
'! 91 @0:0 Object variable not set
