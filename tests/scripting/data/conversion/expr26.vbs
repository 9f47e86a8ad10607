MsgBox CStr(0.1 + 0.2)
'> 0.3
