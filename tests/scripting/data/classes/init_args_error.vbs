Class P
 Sub Class_Initialize(x)
 End Sub
End Class
'! 1053 @1:1 Class initialize or terminate do not have arguments
