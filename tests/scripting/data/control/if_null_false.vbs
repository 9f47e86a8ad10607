If Null Then MsgBox "t" Else MsgBox "f"
'> f
