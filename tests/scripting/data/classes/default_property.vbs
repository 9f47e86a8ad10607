Class P
 Public Default Property Get Val() : Val = 42 : End Property
End Class
Set p = New P
x = p
MsgBox x & " " & (p + 1)
'> 42 43
