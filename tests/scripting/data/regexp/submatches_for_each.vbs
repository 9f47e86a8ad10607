Set r = New RegExp
r.Pattern = "(\d+)-(\d+)(x)?"
s = ""
For Each v In r.Execute("10-20").Item(0).SubMatches
    s = s & "[" & v & "]"
Next
MsgBox s
'> [10][20][]
