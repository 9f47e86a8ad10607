Dim Foo
foo = 3
MsgBox FOO
'> 3
