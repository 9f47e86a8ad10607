Class P
End Class
Set p = New P
x = p
'! 438 @3:0 Object doesn't support this property or method
