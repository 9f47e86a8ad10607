Sub Sw(a, b) : t = a : a = b : b = t : End Sub
x = 1 : y = 2
Sw (x), y
MsgBox x & y
'> 11
