Set r = New RegExp
r.Global = True
r.Pattern = "^\w+$"
MsgBox r.Execute("ab" & vbLf & "cd").Count
r.Multiline = True
Set ms = r.Execute("ab" & vbLf & "cd")
MsgBox ms.Count & " " & ms(0) & " " & ms(1)
'> 0
'> 2 ab cd
