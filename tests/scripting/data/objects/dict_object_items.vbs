Set d = CreateObject("Scripting.Dictionary")
Set d("x") = CreateObject("Scripting.Dictionary")
d("x")("y") = 5
MsgBox d("x")("y")
'> 5
