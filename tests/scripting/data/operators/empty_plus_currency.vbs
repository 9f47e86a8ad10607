MsgBox TypeName(Empty + CCur(1)) & " " & TypeName(CCur(1) * 1.5) & " " & TypeName(CCur(2) - 1)
'> Currency Currency Currency
