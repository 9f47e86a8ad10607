On Error Resume Next
Eval "1 + "
MsgBox Err.Number & " " & Err.Description & " / " & Err.Source
Err.Clear
Execute "x = 1 2"
MsgBox Err.Number & " / " & Err.Source
Err.Clear
Eval "1 / 0"
MsgBox Err.Number & " / " & Err.Source
'> 1002 Syntax error / Microsoft VBScript compilation error
'> 1025 / Microsoft VBScript compilation error
'> 11 / Microsoft VBScript runtime error
