MsgBox 1E+20
'> 1E+20
