Class P
 Public V
 Public Function Self() : Set Self = Me : End Function
End Class
Set p = New P
p.V = 3
MsgBox p.Self().V
'> 3
