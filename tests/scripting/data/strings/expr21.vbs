MsgBox "[" & LTrim("  a ") & "]"
'> [a ]
