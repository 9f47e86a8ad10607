Option Explicit
Dim a
b = 1
'! 500 @2:0 Variable is undefined: 'b'
