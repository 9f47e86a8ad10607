MsgBox Replace("abcabc", "b", "X", 1, 1)
'> aXcabc
