MsgBox "[" & Space(3) & "]"
'> [   ]
