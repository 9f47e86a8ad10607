MsgBox StrComp("a", "b")
'> -1
