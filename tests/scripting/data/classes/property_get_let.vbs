Class P
 Private mV
 Public Property Get V() : V = mV : End Property
 Public Property Let V(x) : mV = x * 2 : End Property
End Class
Set p = New P
p.V = 4
MsgBox p.V
'> 8
