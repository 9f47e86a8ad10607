Set r = New RegExp
r.Pattern = "a.b"
MsgBox r.Test("a" & vbLf & "b") & " " & r.Test("a" & vbCr & "b") & " " & r.Test("a-b")
'> False False True
