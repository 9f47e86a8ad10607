MsgBox Replace("ABC", "b", "x", 1, -1, vbTextCompare)
'> AxC
