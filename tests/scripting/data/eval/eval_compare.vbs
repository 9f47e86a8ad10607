x = 5
MsgBox Eval("x = 5")
'> True
