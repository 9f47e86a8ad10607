MsgBox DateDiff("h", DateSerial(1899, 12, 29) + TimeSerial(18, 0, 0), DateSerial(1899, 12, 30))
'> -6
