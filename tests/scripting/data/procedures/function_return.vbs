Function Sq(x)
 Sq = x * x
End Function
MsgBox Sq(7)
'> 49
