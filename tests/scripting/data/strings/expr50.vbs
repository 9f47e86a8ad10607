MsgBox FormatNumber(0.5, 2, 0)
'> .50
