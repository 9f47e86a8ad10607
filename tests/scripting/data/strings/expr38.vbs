MsgBox Join(Filter(Array("ab", "cd", "ax"), "a"), ",")
'> ab,ax
