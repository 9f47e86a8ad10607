MsgBox Replace("aaa", "a", "b")
'> bbb
