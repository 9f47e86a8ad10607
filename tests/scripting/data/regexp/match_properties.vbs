Set r = New RegExp
r.Pattern = "a+"
Set m = r.Execute(" aabaaa")(0)
MsgBox TypeName(m) & " " & m.Value & " " & m.FirstIndex & " " & m.Length & " " & m
MsgBox TypeName(m.FirstIndex) & " " & TypeName(m.Length)
'> IMatch2 aa 1 2 aa
'> Long Long
