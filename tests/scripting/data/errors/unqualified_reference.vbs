MsgBox "runs"
On Error Resume Next
x = .prop
MsgBox Err.Number
On Error GoTo 0
.prop = 1
'! 505 @5:0 Invalid or unqualified reference
'> runs
'> 505
