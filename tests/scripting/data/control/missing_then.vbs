If True
 x = 1
End If
'! 1017 @0:7 Expected 'Then'
