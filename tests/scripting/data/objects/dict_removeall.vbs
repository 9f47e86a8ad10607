Set d = CreateObject("Scripting.Dictionary")
d("a") = 1
d.RemoveAll
MsgBox d.Count
'> 0
