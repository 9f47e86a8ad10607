Set d = CreateObject("Scripting.Dictionary")
d("Key") = 1
MsgBox d.Exists("KEY")
'> False
