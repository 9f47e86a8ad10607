Set d = CreateObject("Scripting.Dictionary")
d("k") = 5
x = d
'! 450 @2:0 Wrong number of arguments or invalid property assignment
