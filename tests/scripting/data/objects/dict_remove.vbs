Set d = CreateObject("Scripting.Dictionary")
d("a") = 1 : d("b") = 2
d.Remove "a"
MsgBox d.Count & Join(d.Keys)
'> 1b
