Sub R() : R : End Sub
R
'! 28 @0:10 Out of stack space
