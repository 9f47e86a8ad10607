MsgBox CSng(0.001 * 0.001) = 0.000001
MsgBox CSng(0.1) = 0.1
'> True
'> True
