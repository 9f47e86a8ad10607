Class P
 Public A(2)
End Class
Set p = New P
p.A(1) = 5
MsgBox p.A(1) & UBound(p.A)
'> 52
