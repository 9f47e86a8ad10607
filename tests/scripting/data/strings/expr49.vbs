MsgBox FormatNumber(1234.567, 0)
'> 1,235
