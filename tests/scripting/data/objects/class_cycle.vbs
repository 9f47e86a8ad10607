Class N : Public Other : End Class
Set a = New N : Set b = New N
Set a.Other = b : Set b.Other = a
MsgBox "cycle"
'> cycle
