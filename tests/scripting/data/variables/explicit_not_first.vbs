Dim a
Option Explicit
'! 1042 @1:0 Must be first statement on the line
