Class P
 Private S
End Class
Set p = New P
x = p.S
'! 438 @4:0 Object doesn't support this property or method: 's'
