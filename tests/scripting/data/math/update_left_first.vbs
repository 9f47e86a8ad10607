x = 1
Function F() : x = 100 : F = 1 : End Function
x = x + F()
MsgBox x
'> 2
