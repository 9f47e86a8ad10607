MsgBox Round(1.2345, 2)
'> 1.23
