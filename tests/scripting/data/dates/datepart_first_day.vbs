MsgBox DatePart("w", DateSerial(2000, 1, 1), vbMonday) & " " & DatePart("w", DateSerial(2000, 1, 1))
'> 6 7
