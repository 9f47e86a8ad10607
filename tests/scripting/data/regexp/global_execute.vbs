Set r = New RegExp
r.Pattern = "a+"
MsgBox r.Execute(" aabaaa").Count
r.Global = True
MsgBox r.Execute(" aabaaa").Count & " " & r.Global
'> 1
'> 2 True
