Class P
 Property Let V()
 End Property
End Class
'! 1054 @1:1 Property set or let must have at least one argument
