Dim a(3), n
Function NextIndex() : n = n + 1 : NextIndex = n : End Function
Sub Twice(x) : x = x * 2 : End Sub
a(1) = 10
n = 0
Twice a(NextIndex())
MsgBox a(1) & " " & n
'> 20 1
