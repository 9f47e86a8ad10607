MsgBox TypeName(Rnd())
'> Single
