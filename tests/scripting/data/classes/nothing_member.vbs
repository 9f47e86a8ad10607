Set x = Nothing
x.Foo
'! 424 @1:0 Object required: 'x'
