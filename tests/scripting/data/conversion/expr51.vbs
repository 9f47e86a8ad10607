MsgBox TypeName(Array(1))
'> Variant()
