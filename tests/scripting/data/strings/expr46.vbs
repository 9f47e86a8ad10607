MsgBox Replace("a-b", "-", "")
'> ab
