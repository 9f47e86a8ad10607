Option Explicit
Sub S()
  Dim q
  q = 1
  r = 2
End Sub
S
'! 500 @4:2 Variable is undefined: 'r'
