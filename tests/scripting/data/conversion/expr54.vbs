MsgBox RGB(255, 0, 0)
'> 255
