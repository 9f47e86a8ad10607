MsgBox Asc("abc")
'> 97
