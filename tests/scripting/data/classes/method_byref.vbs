Class P
 Sub Inc(x) : x = x + 1 : End Sub
End Class
Set p = New P
v = 1
p.Inc v
MsgBox v
'> 2
