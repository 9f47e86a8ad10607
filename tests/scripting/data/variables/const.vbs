Const PI = 3.14, NAME = "n"
MsgBox PI & NAME
'> 3.14n
