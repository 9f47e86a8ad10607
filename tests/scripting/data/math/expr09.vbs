MsgBox Round(2.675, 2)
'> 2.68
