MsgBox Len(123)
'> 3
