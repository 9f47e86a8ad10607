Class C
 Public p
End Class
Set o = New C
o.p = 5
MsgBox o.p
x = o.p(0)
'> 5
'! 438 @6:0 Object doesn't support this property or method: 'p'
