MsgBox Empty & "x"
'> x
