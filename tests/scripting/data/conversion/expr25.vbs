MsgBox TypeName(CDate("1/1/2000"))
'> Date
