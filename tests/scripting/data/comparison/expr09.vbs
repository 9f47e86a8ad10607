MsgBox StrComp("a", "A", vbTextCompare)
'> 0
