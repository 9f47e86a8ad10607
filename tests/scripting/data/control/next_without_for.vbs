Next
'! 1055 @0:0 Unexpected 'Next'
