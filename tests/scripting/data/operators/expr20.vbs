MsgBox TypeName(2147483647 + 1)
'> Double
