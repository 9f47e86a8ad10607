On Error Resume Next
Err.Raise 65535
MsgBox Err.Number
On Error GoTo 0
Err.Raise &h10000&
'> 65535
'! 5 @4:0 Invalid procedure call or argument
