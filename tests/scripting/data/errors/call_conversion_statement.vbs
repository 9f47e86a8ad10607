On Error Resume Next
For Each f In Array("CBool(1)", "CByte(1)", "CCur(1)", "CDate(1)", "CDbl(1)", "CInt(1)", "CLng(1)", "CSng(1)", "CStr(1)")
 Err.Clear
 Execute "Call " & f
 s = s & Err.Number & " "
Next
MsgBox s
Err.Clear
Call CInt("x")
MsgBox Err.Number
On Error GoTo 0
MsgBox CInt(1)
Call CInt(1)
'> 458 458 458 458 458 458 458 458 458 
'> 13
'> 1
'! 458 @12:0 Variable uses an Automation type not supported in VBScript
