MsgBox LCase(Null) & "x"
'> x
