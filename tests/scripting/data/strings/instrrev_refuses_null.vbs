On Error Resume Next
x = InStrRev("abcd", Null)
MsgBox Err.Number & " " & IsEmpty(x)
Err.Clear
x = InStrRev("abcd", "b", 2, Null)
MsgBox Err.Number
Err.Clear
x = Replace(Null, "x", "y")
MsgBox Err.Number & " " & IsEmpty(x)
'> 94 True
'> 94
'> 94 True
