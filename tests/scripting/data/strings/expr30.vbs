MsgBox Asc("A")
'> 65
