SetLocale 1031
MsgBox CDbl("1,5") * 2 & " " & CDbl("1.234,5") & " " & IsNumeric("1,5")
'> 3 1234,5 True
