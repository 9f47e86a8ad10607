On Error Resume Next
Err.Raise &h800A00AA&
MsgBox Err.Number
Err.Raise &h8007000E&
MsgBox Err.Number & " " & Err.Description
Err.Raise &h800A000B&
MsgBox Err.Number & " " & Err.Description
Err.Raise vbObjectError + 7
MsgBox Err.Number = vbObjectError + 7
'> 170
'> 7 Out of memory
'> 11 Division by zero
'> True
