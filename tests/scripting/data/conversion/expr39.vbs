MsgBox CLng("&H10")
'> 16
