Class P : End Class
Set a = New P : Set b = a : Set c = New P
MsgBox (a Is b) & " " & (a Is c)
'> True False
