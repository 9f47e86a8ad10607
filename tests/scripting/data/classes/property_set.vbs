Class P
 Private mO
 Public Property Get O() : Set O = mO : End Property
 Public Property Set O(x) : Set mO = x : End Property
End Class
Set p = New P
Set p.O = New P
MsgBox TypeName(p.O)
'> P
