Dim x
MsgBox TypeName(x) & "|" & (x = 0) & "|" & (x = "")
'> Empty|True|True
