MsgBox Hex(CLng(-1))
'> FFFFFFFF
