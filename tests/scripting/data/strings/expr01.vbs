MsgBox Len("")
'> 0
