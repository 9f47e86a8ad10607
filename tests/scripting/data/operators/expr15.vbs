MsgBox Null & "x"
'> x
