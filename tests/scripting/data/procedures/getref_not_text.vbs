Sub S
End Sub
Set r = GetRef("S")
MsgBox TypeName(r) <> ""
Set r = GetRef(1)
'> True
'! 13 @4:0 Type mismatch
