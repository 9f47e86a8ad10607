MsgBox SetLocale("de-de") & " " & SetLocale(1036) & " " & SetLocale(0) & " " & GetLocale()
'> 1033 1031 1036 1033
