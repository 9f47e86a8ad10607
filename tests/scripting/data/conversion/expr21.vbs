MsgBox CByte(255)
'> 255
