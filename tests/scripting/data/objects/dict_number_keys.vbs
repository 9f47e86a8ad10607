Set d = CreateObject("Scripting.Dictionary")
d(1) = "one"
MsgBox d.Exists(1) & d.Exists("1")
'> TrueFalse
