x = CByte(0) Imp Null
MsgBox TypeName(x) & " " & x
'> Byte 255
