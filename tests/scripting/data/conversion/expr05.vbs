MsgBox Round(2.5)
'> 2
