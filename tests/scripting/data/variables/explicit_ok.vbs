Option Explicit
Dim a
a = 1
MsgBox a
'> 1
