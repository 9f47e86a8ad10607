On Error Resume Next
Err.Raise 1001, "src", "desc", "help.chm", 42
MsgBox Err.HelpFile & " " & Err.HelpContext & " " & Err.Source & " " & Err.Description
Err.Clear
MsgBox "[" & Err.HelpFile & "] " & Err.HelpContext
'> help.chm 42 src desc
'> [] 0
