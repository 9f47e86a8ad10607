Dim a(3)
For i = 0 To 3 : a(i) = i * 2 : Next
MsgBox Join(a, ",")
