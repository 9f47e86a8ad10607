For Each x In 5
Next
'! 451 @0:0 Object not a collection
