MsgBox Mid("hello", 10)
'> 
