Class P
 Public Default Function Item(i) : Item = i * 2 : End Function
End Class
Set p = New P
MsgBox p(21)
'> 42
