MsgBox 1E3
'> 1000
