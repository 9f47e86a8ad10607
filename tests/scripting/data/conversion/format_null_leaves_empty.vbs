On Error Resume Next
x = FormatNumber(Null)
MsgBox Err.Number & " " & IsEmpty(x)
Err.Clear
x = FormatCurrency(1, Null)
MsgBox Err.Number & " " & IsEmpty(x)
Err.Clear
x = FormatDateTime(Null)
MsgBox Err.Number & " " & IsEmpty(x)
'> 13 True
'> 94 True
'> 13 True
