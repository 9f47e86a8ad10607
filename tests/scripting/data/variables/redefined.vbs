Dim a
Dim a
'! 1041 @1:4 Name redefined
