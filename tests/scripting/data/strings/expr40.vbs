MsgBox Hex(255)
'> FF
