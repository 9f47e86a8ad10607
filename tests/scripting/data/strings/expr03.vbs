MsgBox Left("hello", 2)
'> he
