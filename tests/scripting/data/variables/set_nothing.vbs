Set x = Nothing
MsgBox TypeName(x) & " " & (x Is Nothing)
'> Nothing True
