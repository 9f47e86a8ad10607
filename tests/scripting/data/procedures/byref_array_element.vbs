Sub Inc(x) : x = x + 1 : End Sub
Dim a(2)
a(1) = 5
Inc a(1)
MsgBox a(1)
Call Inc(a(1))
MsgBox a(1)
Inc (a(1))
MsgBox a(1)
'> 6
'> 7
'> 7
