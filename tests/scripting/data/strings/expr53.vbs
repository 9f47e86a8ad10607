MsgBox FormatNumber(1234, 2, , , 0)
'> 1234.00
