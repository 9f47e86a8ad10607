SetLocale 1031 : MsgBox GetLocale() & " " & CStr(1.5)
'> 1031 1,5
