MsgBox TypeName(AscB("A")) & " " & AscB("A")
'> Byte 65
