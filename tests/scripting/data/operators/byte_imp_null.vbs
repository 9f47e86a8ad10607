x = CByte(0) Imp Null
MsgBox TypeName(x) & " " & x
MsgBox (CByte(170) Imp Null) & " " & TypeName(CByte(255) Imp Null) & " " & (CByte(255) Imp Null)
'> Byte 255
'> 85 Byte 0
