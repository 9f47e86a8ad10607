On Error Resume Next
Err.Raise 1000, "src", "custom"
MsgBox Err.Number & " " & Err.Source & " " & Err.Description
'> 1000 src custom
