Sub Inc(ByVal x) : x = x + 1 : End Sub
v = 1
Inc v
MsgBox v
'> 1
