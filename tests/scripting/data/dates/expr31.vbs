MsgBox FormatDateTime(#1/2/2003 13:04#, 4)
'> 13:04
