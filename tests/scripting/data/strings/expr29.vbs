MsgBox Chr(65)
'> A
