MsgBox TypeName(Empty And Empty) & " " & TypeName(Not Empty) & " " & (Not Empty)
'> Long Long -1
