Set x = Nothing
MsgBox x Is Nothing
'> True
