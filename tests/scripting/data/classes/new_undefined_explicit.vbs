Option Explicit
Dim o
Set o = New NoSuchClass
'! 500 @2:0 Variable is undefined: 'NoSuchClass'
