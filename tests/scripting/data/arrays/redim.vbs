Dim a()
ReDim a(4)
MsgBox UBound(a)
'> 4
