MsgBox DateSerial(2020, 3, 0)
'> 2/29/2020
