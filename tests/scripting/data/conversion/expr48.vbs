MsgBox TypeName(Nothing)
'> Nothing
