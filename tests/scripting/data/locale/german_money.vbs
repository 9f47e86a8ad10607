SetLocale 1031
MsgBox FormatCurrency(1234.5) & "|" & FormatCurrency(-2) & "|" & FormatNumber(1234567.891, 1)
'> 1.234,50 €|-2,00 €|1.234.567,9
