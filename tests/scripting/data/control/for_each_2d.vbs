Dim a(1, 1)
a(0,0) = 1 : a(1,0) = 2 : a(0,1) = 3 : a(1,1) = 4
s = ""
For Each x In a : s = s & x : Next
MsgBox s
'> 1234
