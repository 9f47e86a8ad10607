MsgBox False Imp True
'> True
