Set d = CreateObject("Scripting.Dictionary")
d.CompareMode = vbTextCompare
d("Key") = 1
MsgBox d.Exists("KEY")
'> True
