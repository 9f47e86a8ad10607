Class P
End Class
Set p = New P
p.Nope
'! 438 @3:0 Object doesn't support this property or method: 'nope'
