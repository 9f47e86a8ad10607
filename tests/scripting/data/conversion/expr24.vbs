MsgBox TypeName(CCur(1))
'> Currency
