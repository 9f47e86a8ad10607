Function F()
End Function
MsgBox TypeName(F())
'> Empty
