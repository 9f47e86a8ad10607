MsgBox Round(Atn(1) * 4, 5)
'> 3.14159
