' After an empty match the search goes on one character later.
Set r = New RegExp
MsgBox r.Replace("xxx", "y")
r.Global = True
MsgBox r.Replace("xxx", "y")
r.Pattern = "a*"
MsgBox r.Replace("baaac", "-")
'> yxxx
'> yxyxyxy
'> -b--c-
