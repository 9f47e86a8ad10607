MsgBox Abs(-2.5)
'> 2.5
