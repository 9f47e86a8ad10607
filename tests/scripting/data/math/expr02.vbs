MsgBox Log(1)
'> 0
