On Error Resume Next
Dim a()
ReDim a(1)
Sub Boom(x) : x = 1 : Err.Raise 5 : End Sub
Boom a(0)
MsgBox Err.Number & " " & a(0)
Err.Clear
ReDim a(3)
MsgBox UBound(a) & " " & Err.Number
Sub Swap(x) : a = 7 : End Sub
Swap a(0)
MsgBox Err.Number & " " & UBound(a)
'> 5 1
'> 3 0
'> 10 3
