x = 5
y = x.Foo
'! 424 @1:0 Object required: 'x'
