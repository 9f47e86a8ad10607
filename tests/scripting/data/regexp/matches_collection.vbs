Set r = New RegExp
r.Pattern = "\d+"
r.Global = True
Set ms = r.Execute("a1 b22 c333")
MsgBox TypeName(ms) & " " & ms.Count & " " & TypeName(ms.Count)
MsgBox ms.Item(0).Value & " " & ms(1) & " " & ms(2).FirstIndex
'> IMatchCollection2 3 Long
'> 1 22 8
