MsgBox False And Null
'> False
