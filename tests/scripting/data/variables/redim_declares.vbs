Option Explicit
ReDim a(3)
a(3) = "top"
MsgBox UBound(a) & a(3)
Sub T
 ReDim b(1)
 b(1) = "in"
 MsgBox b(1)
 Execute "Dim c : c = 20"
 MsgBox c
End Sub
T
'> 3top
'> in
'> 20
