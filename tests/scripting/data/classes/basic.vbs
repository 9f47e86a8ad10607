Class P
 Public Name
End Class
Set p = New P
p.Name = "x"
MsgBox p.Name
'> x
