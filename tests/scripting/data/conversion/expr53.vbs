MsgBox TypeName(#1/1/2000#)
'> Date
