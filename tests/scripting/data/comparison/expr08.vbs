MsgBox StrComp("a", "A")
'> 1
