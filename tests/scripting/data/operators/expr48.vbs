MsgBox &HFF
'> 255
