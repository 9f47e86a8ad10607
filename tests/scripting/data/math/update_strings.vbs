s = "a"
s = s + "b"
n = 5
n = n - 7
d = 0.5
d = d + 1
MsgBox s & n & d & TypeName(n)
'> ab-21.5Integer
