ExecuteGlobal "Function Tw(x) : Tw = x * 2 : End Function"
MsgBox Tw(4)
'> 8
