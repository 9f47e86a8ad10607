MsgBox "ran"
x = (1 + 
'! 1023 @1:9 Expected expression
