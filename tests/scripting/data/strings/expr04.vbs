MsgBox Right("hello", 3)
'> llo
