On Error Resume Next
x = 1 / 0
MsgBox Err.Source
Err.Raise 1000
MsgBox Err.Source & " / " & Err.Description
Err.Clear
MsgBox "[" & Err.Source & "]"
'> Microsoft VBScript runtime error
'> Microsoft VBScript runtime error / Unknown runtime error
'> []
