MsgBox CByte(True) & " " & TypeName(CByte(True))
'> 255 Byte
