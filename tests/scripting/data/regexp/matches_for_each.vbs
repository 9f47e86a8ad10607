Set r = New RegExp
r.Pattern = "is."
r.IgnoreCase = True
r.Global = True
s = ""
For Each m In r.Execute("IS1 is2 IS3 is4")
    s = s & m.Value & "@" & m.FirstIndex & " "
Next
MsgBox s
'> IS1@0 is2@4 IS3@8 is4@12 
