Class P
 Private d(3)
 Public Property Get It(i) : It = d(i) : End Property
 Public Property Let It(i, v) : d(i) = v : End Property
End Class
Set p = New P
p.It(2) = "z"
MsgBox p.It(2)
'> z
