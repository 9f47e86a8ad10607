Dim [my var]
[my var] = 4
MsgBox [my var]
'> 4
