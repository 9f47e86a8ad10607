MsgBox 0.00001
'> 1E-05
