MsgBox K
Const K = 7
'> 7
