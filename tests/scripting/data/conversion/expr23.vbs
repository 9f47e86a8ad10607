MsgBox TypeName(CSng(1.5))
'> Single
