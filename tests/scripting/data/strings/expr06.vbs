MsgBox Mid("hello", 2, 3)
'> ell
