Set r = New RegExp
r.Pattern = "(a|b)+|(c)"
Set m = r.Execute("aa").Item(0)
Set s = m.SubMatches
MsgBox TypeName(s) & " " & s.Count & " " & s.Item(0) & " " & s(0) & " " & m.SubMatches(0)
MsgBox TypeName(s(1)) & " " & IsEmpty(m.SubMatches(1))
'> ISubMatches 2 a a a
'> Empty True
