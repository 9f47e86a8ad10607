i = 2147483647
i = i + 1
MsgBox i & TypeName(i)
'> 2147483648Double
