' FirstIndex and Length count characters as Len and Mid do.
Set r = New RegExp
r.Pattern = "b+"
s = ChrW(233) & "xbb"
Set m = r.Execute(s)(0)
MsgBox (Mid(s, m.FirstIndex + 1, m.Length) = m.Value) & " " & (m.FirstIndex + m.Length = Len(s))
'> True True
