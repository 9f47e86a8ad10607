On Error Resume Next
x = CInt("z")
MsgBox Err
'> 13
