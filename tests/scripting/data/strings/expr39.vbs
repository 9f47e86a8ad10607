MsgBox Join(Filter(Array("ab", "cd", "ax"), "a", False), ",")
'> cd
