SetLocale 2057
MsgBox DateSerial(2000, 1, 31) & "|" & IsDate("31/1/2000") & "|" & FormatCurrency(-5)
'> 31/01/2000|True|-£5.00
