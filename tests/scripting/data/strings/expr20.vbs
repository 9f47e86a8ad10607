MsgBox "[" & Trim("  a b  ") & "]"
'> [a b]
