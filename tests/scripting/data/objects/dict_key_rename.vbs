Set d = CreateObject("Scripting.Dictionary")
d("a") = 1
d.Key("a") = "b"
MsgBox d.Exists("a") & d("b")
'> False1
