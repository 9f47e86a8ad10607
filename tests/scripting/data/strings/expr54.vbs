MsgBox FormatPercent(0.256, 1)
'> 25.6%
