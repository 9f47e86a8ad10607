Sub Inc(x) : x = x + 1 : End Sub
v = 1
Call Inc(v)
MsgBox v
'> 2
