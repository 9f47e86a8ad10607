MsgBox "a" & vbTab & "b"
'> a	b
