MsgBox CStr(-0.5)
'> -0.5
