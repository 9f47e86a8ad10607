MsgBox FormatDateTime(#1/2/2003#, 1)
'> Thursday, January 2, 2003
