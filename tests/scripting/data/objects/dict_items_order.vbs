Set d = CreateObject("Scripting.Dictionary")
d("z") = 1 : d("a") = 2 : d("m") = 3
MsgBox Join(d.Keys, ",") & " " & Join(d.Items, ",")
'> z,a,m 1,2,3
