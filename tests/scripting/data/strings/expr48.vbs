MsgBox FormatNumber(1234.567)
'> 1,234.57
