x = "abc
'! 1033 @0:4 Unterminated string constant
