MsgBox CStr(1.5)
'> 1.5
