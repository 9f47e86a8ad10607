Sub Clear(ByVal x) : x = 0 : End Sub
Sub Mark(ByRef x) : x = "marked" : End Sub
Dim a(1)
a(0) = 9
Clear a(0)
MsgBox a(0)
Mark a(1)
MsgBox a(1)
'> 9
'> marked
