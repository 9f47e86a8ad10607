MsgBox InStr(1, "ABC", "b", vbTextCompare) & InStr(1, "ABC", "b", vbBinaryCompare)
'> 20
