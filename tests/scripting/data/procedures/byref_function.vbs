Function Inc(x) : x = x + 1 : Inc = x : End Function
v = 1
r = Inc(v)
MsgBox v & r
'> 22
