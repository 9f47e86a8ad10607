SetLocale "fr-FR"
MsgBox FormatNumber(1234.5) & "|" & CDbl("1 234,5") & "|" & MonthName(2)
'> 1 234,50|1234,5|février
