MsgBox Left("hi", 10)
'> hi
