With Nothing
End With
MsgBox "nothing ok"
With 42
 MsgBox "inside"
End With
'> nothing ok
'! 424 @3:0 Object required
