x = 1 + _
    2 + _
    3
MsgBox x
'> 6
