Class P : Public V : End Class
Set a = New P
Set b = a
b.V = 9
MsgBox a.V
'> 9
