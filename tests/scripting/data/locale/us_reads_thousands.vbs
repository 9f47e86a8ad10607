MsgBox FormatNumber("1,234.5") & " " & CDbl("$12.5")
'> 1,234.50 12.5
