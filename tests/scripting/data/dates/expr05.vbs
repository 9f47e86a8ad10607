MsgBox DateSerial(2020, 13, 1)
'> 1/1/2021
