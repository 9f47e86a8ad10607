MsgBox Replace("abcabc", "b", "X", 3)
'> caXc
