MsgBox CStr(1E15)
'> 1E+15
