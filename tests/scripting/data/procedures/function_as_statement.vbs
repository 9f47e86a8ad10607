Function F(x) : MsgBox x : F = 1 : End Function
F 3
'> 3
