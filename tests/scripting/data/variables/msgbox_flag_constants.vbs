MsgBox vbUseSystem & " " & vbMsgBoxHelpButton & " " & vbMsgBoxSetForeground & " " & vbMsgBoxRight & " " & vbMsgBoxRtlReading
MsgBox TypeName(vbMsgBoxHelpButton) & " " & TypeName(vbUseSystem)
'> 0 16384 65536 524288 1048576
'> Long Integer
