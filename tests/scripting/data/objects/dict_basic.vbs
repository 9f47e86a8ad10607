Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
d.Add "b", 2
MsgBox d.Count & d("b") & d.Exists("a") & d.Exists("z")
'> 22TrueFalse
