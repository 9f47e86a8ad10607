MsgBox Len(vbCrLf)
'> 2
