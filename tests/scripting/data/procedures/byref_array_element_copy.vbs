Function Bump(v) : v = v + 100 : Bump = v : End Function
Dim a(0), b
a(0) = 1
b = a
r = Bump(a(0))
MsgBox a(0) & " " & b(0) & " " & r
'> 101 1 101
