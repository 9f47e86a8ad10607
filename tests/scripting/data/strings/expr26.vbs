MsgBox String(3, "x")
'> xxx
