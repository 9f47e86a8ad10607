Sub Bad()
 Dim a(1)
 a(5) = 1
End Sub
Bad
'! 9 @2:1 Subscript out of range
