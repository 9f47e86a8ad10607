Sub A()
 Sub B()
 End Sub
End Sub
'! 1002 @1:1 Syntax error
