' A group of alternatives inside a repeat, failing on a plain subject, ends
' at once with no match.
Set r = New RegExp
r.Pattern = "^[^<]*(<(.|\s)+>)[^>]*$|^#(\w+)$"
MsgBox r.Execute(String(110, "x")).Count
MsgBox r.Execute("ab <x y> cd")(0).SubMatches(0)
'> 0
'> <x y>
