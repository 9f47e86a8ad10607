MsgBox Mid("hello", 3)
'> llo
