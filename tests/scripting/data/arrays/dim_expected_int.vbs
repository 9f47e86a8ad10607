n = 3
Dim a(n)
'! 1026 @1:6 Expected integer constant
