Sub Append(s) : s = s & "b" : End Sub
Dim m(1, 2)
m(1, 2) = "a"
Append m(1, 2)
Append m(0, 0)
MsgBox m(1, 2) & "|" & m(0, 0) & "|" & m(0, 2)
'> ab|b|
