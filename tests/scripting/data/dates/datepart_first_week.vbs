d = DateSerial(2000, 1, 1)
MsgBox DatePart("ww", d) & " " & DatePart("ww", d, vbSunday, vbFirstFourDays) & " " & DatePart("ww", d, vbSunday, vbFirstFullWeek)
MsgBox DatePart("ww", DateSerial(2000, 1, 9), vbMonday, vbFirstFullWeek)
'> 1 52 52
'> 1
