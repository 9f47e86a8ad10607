Set r = New RegExp
r.Pattern = "(\w)\1"
r.Global = True
Set ms = r.Execute("abccdeef")
MsgBox ms.Count & " " & ms(0) & " " & ms(1)
' Past the last group the digits are an octal escape.
r.Pattern = "a\2"
MsgBox r.Test("a" & Chr(2))
'> 2 cc ee
'> True
