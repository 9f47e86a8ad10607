MsgBox Round(0.5)
'> 0
