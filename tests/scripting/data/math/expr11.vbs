MsgBox Round(1.5)
'> 2
