MsgBox CStr(True)
'> True
