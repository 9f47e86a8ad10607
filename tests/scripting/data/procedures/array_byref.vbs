Sub Fill(a) : a(0) = 9 : End Sub
Dim arr(1)
Fill arr
MsgBox arr(0)
'> 9
