Set r = New RegExp
r.Pattern = "a"
Set ms = r.Execute("a")
MsgBox ms.Count
x = ms.Item(1)
'> 1
'! 5 @4:0 Invalid procedure call or argument
