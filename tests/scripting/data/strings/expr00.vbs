MsgBox Len("hello")
'> 5
