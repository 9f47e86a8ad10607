On Error Resume Next
Err.Raise 9
MsgBox Err.Description
'> Subscript out of range
