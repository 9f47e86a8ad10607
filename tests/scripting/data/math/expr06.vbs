MsgBox Round(Tan(0.5), 4)
'> 0.5463
