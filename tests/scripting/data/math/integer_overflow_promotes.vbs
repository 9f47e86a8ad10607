x = 32767
x = x + 1
MsgBox TypeName(x) & x
'> Long32768
