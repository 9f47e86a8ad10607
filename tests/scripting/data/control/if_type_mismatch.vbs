If "abc" Then MsgBox "t"
'! 13 @0:0 Type mismatch
