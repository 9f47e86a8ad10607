a = "x"
b = a
a = a & "y"
MsgBox a & b
'> xyx
