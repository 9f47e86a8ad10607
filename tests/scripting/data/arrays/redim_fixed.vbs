Dim a(2)
ReDim a(4)
'! 10 @1:0 This array is fixed or temporarily locked
