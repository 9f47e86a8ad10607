MsgBox Eval("2 * (3 + 4)")
'> 14
