MsgBox Abs(-5)
'> 5
