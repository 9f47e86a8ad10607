MsgBox TypeName(CByte(1))
'> Byte
