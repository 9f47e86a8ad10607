Class P
 Public Default Function A() : End Function
 Public Default Function B() : End Function
End Class
'! 1052 @2:16 Cannot have multiple default property/method in a Class
