Set d = CreateObject("Scripting.Dictionary")
x = d("new")
MsgBox d.Count & IsEmpty(x)
'> 1True
