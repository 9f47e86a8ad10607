' Without Multiline "$" is the very end only, not before a final line break.
Set r = New RegExp
r.Pattern = "x$"
MsgBox r.Test("ax" & vbLf) & " " & r.Test("ax")
'> False True
