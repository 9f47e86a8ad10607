MsgBox Round(3.5)
'> 4
