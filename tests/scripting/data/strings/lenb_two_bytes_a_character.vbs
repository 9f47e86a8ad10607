MsgBox LenB("abc") & " " & IsNull(LenB(Null))
'> 6 True
