On Error Resume Next
Err.Raise 12345
MsgBox Err.Description
'> Unknown runtime error
