Dim a()
ReDim a(2)
Sub Grow(x)
  ReDim Preserve a(5)
End Sub
Grow a(0)
'! 10 @3:2 This array is fixed or temporarily locked
