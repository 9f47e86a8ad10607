MsgBox String(2, 65)
'> AA
