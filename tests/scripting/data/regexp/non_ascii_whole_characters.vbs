' Characters of other scripts are matched whole: a dot, \W or a negated
' class never takes half of one.
Set re = New RegExp
re.Pattern = "r.s"
s = ChrW(233) & "tr" & ChrW(233) & "s"
Set m = re.Execute(s)(0)
MsgBox (Mid(s, m.FirstIndex + 1, m.Length) = m.Value) & " " & (m.Value = "r" & ChrW(233) & "s")
re.Global = True
re.Pattern = "[^a]"
MsgBox re.Replace("a" & ChrW(233) & "a" & ChrW(8364), "x")
re.Pattern = "\W"
MsgBox re.Replace(ChrW(233) & "-", "x")
re.Pattern = "b"
MsgBox re.Replace("a" & Chr(200) & "b", "x") = "a" & Chr(200) & "x"
'> True True
'> axax
'> xx
'> True
