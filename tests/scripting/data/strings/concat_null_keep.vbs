s = "a"
s = s & Null
MsgBox s
'> a
