Exit For
'! 1039 @0:0 Invalid 'exit' statement
