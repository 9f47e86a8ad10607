Class P
 Private Function Sec() : Sec = 7 : End Function
 Public Function Pub() : Pub = Sec() + Me.Sec() : End Function
End Class
Set p = New P
MsgBox p.Pub()
'> 14
