Set r = New RegExp
r.Pattern = "a[]"
MsgBox r.Test("a]") & " " & r.Test("a")
r.Pattern = "a[^]b"
MsgBox r.Test("a" & vbLf & "b")
'> False False
'> True
