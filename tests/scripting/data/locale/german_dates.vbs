SetLocale 1031
MsgBox DateSerial(2000, 1, 31) + TimeSerial(14, 5, 0)
MsgBox FormatDateTime(DateSerial(2000, 1, 1), vbLongDate)
MsgBox CDate("31.12.2000") = DateSerial(2000, 12, 31)
MsgBox Month(#2/3/2000#)
'> 31.01.2000 14:05:00
'> Samstag, 1. Januar 2000
'> True
'> 2
